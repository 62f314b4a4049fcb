import java.awt.Color;
import java.awt.Font;
import java.awt.GradientPaint;
import java.awt.Graphics2D;
import java.awt.RenderingHints;
import java.awt.image.BufferedImage;
import java.io.ByteArrayOutputStream;
import java.io.File;
import java.io.IOException;
import java.nio.charset.Charset;
import java.nio.file.Files;
import java.nio.file.StandardCopyOption;
import javax.imageio.ImageIO;

/**
 * A published site's viewer folder as the generator lays it out: PhotoAlbum/ with the
 * viewer's images, PhotoAlbum/index/album-N.dat and PhotoAlbum/images/album-N/.
 */
final class AlbumSite {
  static final String[] VIEWER_IMAGES = {
    "photo_album.gif", "spiral.gif", "Torvexa_logo_long.jpg", "Torvexa_logo_long_blk.jpg",
  };

  final File root;
  final File codeBase;

  AlbumSite(File root) throws IOException {
    this.root = root;
    this.codeBase = new File(root, "PhotoAlbum");
    mkdirs(new File(codeBase, "index"));
    File viewer = new File(System.getProperty("quorvale.viewer.dir", "."));
    for (String name : VIEWER_IMAGES) {
      Files.copy(new File(viewer, name).toPath(), new File(codeBase, name).toPath(),
          StandardCopyOption.REPLACE_EXISTING);
    }
  }

  /** Writes album n's index file: name, comment and "~" per picture, CR LF line ends. */
  void writeIndex(int album, String charset, String[][] entries) throws IOException {
    ByteArrayOutputStream bytes = new ByteArrayOutputStream();
    Charset cs = Charset.forName(charset);
    for (String[] entry : entries) {
      bytes.write((entry[0] + "\r\n" + entry[1] + "\r\n~\r\n").getBytes(cs));
    }
    Files.write(new File(codeBase, "index/album-" + album + ".dat").toPath(), bytes.toByteArray());
  }

  /** Draws a w x h picture (JPEG or GIF by its extension) into album n's image folder. */
  void writePicture(int album, String name, int w, int h, Color color) throws IOException {
    File folder = new File(codeBase, "images/album-" + album);
    mkdirs(folder);
    BufferedImage image = new BufferedImage(w, h, BufferedImage.TYPE_INT_RGB);
    Graphics2D g = image.createGraphics();
    g.setRenderingHint(RenderingHints.KEY_ANTIALIASING, RenderingHints.VALUE_ANTIALIAS_ON);
    g.setPaint(new GradientPaint(0, 0, color, w, h, color.darker().darker()));
    g.fillRect(0, 0, w, h);
    g.setColor(Color.WHITE);
    g.fillOval(w / 8, h / 8, w / 4, h / 4);
    g.setFont(new Font("SansSerif", Font.BOLD, Math.max(h / 8, 8)));
    g.drawString(name, w / 8, h * 3 / 4);
    g.dispose();
    String format = name.toLowerCase().endsWith(".gif") ? "gif" : "jpeg";
    if (!ImageIO.write(image, format, new File(folder, name))) {
      throw new IOException("no writer for " + name);
    }
  }

  private static void mkdirs(File folder) throws IOException {
    if (!folder.isDirectory() && !folder.mkdirs()) throw new IOException("cannot create " + folder);
  }
}
