import java.awt.BasicStroke;
import java.awt.Color;
import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.GradientPaint;
import java.awt.Graphics2D;
import java.awt.RenderingHints;
import java.awt.geom.Ellipse2D;
import java.awt.geom.Path2D;
import java.awt.geom.RoundRectangle2D;
import java.awt.image.BufferedImage;
import java.io.File;
import java.io.IOException;
import java.util.Iterator;
import javax.imageio.IIOImage;
import javax.imageio.ImageIO;
import javax.imageio.ImageWriteParam;
import javax.imageio.ImageWriter;
import javax.imageio.stream.ImageOutputStream;

/**
 * Draws the Torvexa viewer's four images at build time: the photo-album badge of the
 * banner, the spiral binding strip of the album page, and the viewer's logo on a light
 * and on a black ground. Usage: ViewerImages OUTPUT_FOLDER
 */
public final class ViewerImages {
  private static final Color NAVY = new Color(0x1B, 0x2A, 0x4A);
  private static final Color BLUE = new Color(0x2E, 0x6D, 0xB4);
  private static final Color SKY = new Color(0x4F, 0xB3, 0xFF);
  private static final Color PAPER = new Color(0xF5, 0xF3, 0xEE);
  private static final int SPIRAL_WIDTH = 2048;

  private ViewerImages() {}

  public static void main(String[] args) throws IOException {
    if (args.length != 1) {
      System.err.println("usage: ViewerImages OUTPUT_FOLDER");
      System.exit(2);
    }
    File out = new File(args[0]);
    if (!out.isDirectory() && !out.mkdirs()) throw new IOException("cannot create " + out);
    writeGif(badge(), new File(out, "photo_album.gif"));
    writeGif(spiral(), new File(out, "spiral.gif"));
    writeJpeg(logo(PAPER, NAVY, BLUE, new Color(0x60, 0x60, 0x60)), new File(out, "Torvexa_logo_long.jpg"));
    writeJpeg(logo(Color.BLACK, new Color(0xF2, 0xF2, 0xF2), SKY, new Color(0xA8, 0xA8, 0xA8)),
        new File(out, "Torvexa_logo_long_blk.jpg"));
  }

  private static Graphics2D smooth(BufferedImage image) {
    Graphics2D g = image.createGraphics();
    g.setRenderingHint(RenderingHints.KEY_ANTIALIASING, RenderingHints.VALUE_ANTIALIAS_ON);
    g.setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING, RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
    g.setRenderingHint(RenderingHints.KEY_STROKE_CONTROL, RenderingHints.VALUE_STROKE_PURE);
    g.setRenderingHint(RenderingHints.KEY_RENDERING, RenderingHints.VALUE_RENDER_QUALITY);
    return g;
  }

  /** 200 x 40: a navy tile with an open album and the words "Photo Album". */
  static BufferedImage badge() {
    BufferedImage image = new BufferedImage(200, 40, BufferedImage.TYPE_INT_RGB);
    Graphics2D g = smooth(image);
    g.setPaint(new GradientPaint(0, 0, new Color(0x2E, 0x4A, 0x7A), 0, 40, NAVY));
    g.fillRect(0, 0, 200, 40);
    g.setColor(new Color(0x8F, 0xB8, 0xE8));
    g.drawRect(0, 0, 199, 39);
    // An open album: two pages, each with a small picture.
    g.setColor(PAPER);
    g.fill(new RoundRectangle2D.Double(8, 9, 17, 23, 3, 3));
    g.fill(new RoundRectangle2D.Double(27, 9, 17, 23, 3, 3));
    g.setColor(SKY);
    g.fillRect(11, 13, 11, 9);
    g.fillRect(30, 17, 11, 9);
    g.setColor(new Color(0xF2, 0xC1, 0x4E));
    g.fill(new Ellipse2D.Double(18, 14, 3, 3));
    g.setColor(new Color(0x2F, 0x7A, 0x3A));
    Path2D hill = new Path2D.Double();
    hill.moveTo(30, 26);
    hill.lineTo(35, 20);
    hill.lineTo(41, 26);
    hill.closePath();
    g.fill(hill);
    g.setColor(Color.WHITE);
    g.setFont(new Font("DejaVu Serif", Font.BOLD, 19));
    g.drawString("Photo Album", 54, 27);
    g.dispose();
    return image;
  }

  /**
   * 2048 x 32, tiled down the left edge of the album page: black ground, the edge of the
   * album's pages with one punched hole, and one turn of silver wire through it. The
   * page runs on to the right, wider than a screen, so the next tile to the right never
   * shows: the viewer covers the page, or without Java the page stays blank paper.
   */
  static BufferedImage spiral() {
    BufferedImage image = new BufferedImage(SPIRAL_WIDTH, 32, BufferedImage.TYPE_INT_RGB);
    Graphics2D g = smooth(image);
    g.setColor(Color.BLACK);
    g.fillRect(0, 0, SPIRAL_WIDTH, 32);
    g.setPaint(new GradientPaint(40, 0, new Color(0xC8, 0xC2, 0xB4), 60, 0, PAPER));
    g.fillRect(40, 0, SPIRAL_WIDTH - 40, 32);
    g.setColor(new Color(0x9A, 0x94, 0x88));
    g.drawLine(40, 0, 40, 31);
    // The punched hole.
    g.setColor(new Color(0x18, 0x18, 0x18));
    g.fill(new Ellipse2D.Double(52, 11, 10, 10));
    // One turn of wire: from the hole over the page edge and round the spine.
    Path2D wire = new Path2D.Double();
    wire.moveTo(57, 16);
    wire.curveTo(46, 2, 22, 0, 14, 10);
    wire.curveTo(10, 16, 14, 24, 22, 28);
    g.setStroke(new BasicStroke(4.5f, BasicStroke.CAP_ROUND, BasicStroke.JOIN_ROUND));
    g.setColor(new Color(0x55, 0x58, 0x5E));
    g.draw(wire);
    g.setStroke(new BasicStroke(2.5f, BasicStroke.CAP_ROUND, BasicStroke.JOIN_ROUND));
    g.setPaint(new GradientPaint(14, 0, new Color(0xF4, 0xF6, 0xFA), 57, 0, new Color(0xA9, 0xAF, 0xB8)));
    g.draw(wire);
    g.dispose();
    return image;
  }

  /** 400 x 50: a lens-aperture mark, the name "TORVEXA" and the line "photo album viewer". */
  static BufferedImage logo(Color ground, Color text, Color mark, Color subtitle) {
    BufferedImage image = new BufferedImage(400, 50, BufferedImage.TYPE_INT_RGB);
    Graphics2D g = smooth(image);
    g.setColor(ground);
    g.fillRect(0, 0, 400, 50);
    drawAperture(g, 25, 25, 19, mark, ground);
    g.setColor(text);
    Font name = new Font("DejaVu Sans", Font.BOLD, 30);
    g.setFont(name);
    drawSpaced(g, "TORVEXA", 56, 36, 3);
    g.setColor(subtitle);
    g.setFont(new Font("DejaVu Sans", Font.PLAIN, 13));
    FontMetrics small = g.getFontMetrics();
    String line = "photo album viewer";
    g.drawString(line, 392 - small.stringWidth(line), 36);
    g.setColor(mark);
    g.fillRect(260, 42, 132, 2);
    g.dispose();
    return image;
  }

  private static void drawSpaced(Graphics2D g, String text, int x, int baseline, int spacing) {
    FontMetrics metrics = g.getFontMetrics();
    for (char c : text.toCharArray()) {
      g.drawString(String.valueOf(c), x, baseline);
      x += metrics.charWidth(c) + spacing;
    }
  }

  /** A six-bladed lens aperture: a disc with a hexagonal opening and the blades' edges. */
  private static void drawAperture(Graphics2D g, int cx, int cy, int radius, Color mark, Color ground) {
    g.setColor(mark);
    g.fill(new Ellipse2D.Double(cx - radius, cy - radius, 2 * radius, 2 * radius));
    double inner = radius * 0.42;
    Path2D hexagon = new Path2D.Double();
    for (int i = 0; i < 6; i++) {
      double a = Math.toRadians(60 * i + 15);
      double x = cx + inner * Math.cos(a);
      double y = cy + inner * Math.sin(a);
      if (i == 0) hexagon.moveTo(x, y); else hexagon.lineTo(x, y);
    }
    hexagon.closePath();
    g.setColor(ground);
    g.fill(hexagon);
    g.setStroke(new BasicStroke(1.6f));
    for (int i = 0; i < 6; i++) {
      double a = Math.toRadians(60 * i + 15);
      double b = Math.toRadians(60 * i + 15 + 60);
      double x0 = cx + inner * Math.cos(a);
      double y0 = cy + inner * Math.sin(a);
      // Each blade edge runs on from a corner of the opening along the next side's direction.
      double dx = Math.cos(b) * inner - Math.cos(a) * inner;
      double dy = Math.sin(b) * inner - Math.sin(a) * inner;
      double length = Math.hypot(dx, dy);
      double reach = radius * 1.05;
      g.draw(new java.awt.geom.Line2D.Double(x0, y0, x0 - dx / length * reach, y0 - dy / length * reach));
    }
    g.setClip(null);
    g.setColor(mark);
    g.setStroke(new BasicStroke(2f));
    g.draw(new Ellipse2D.Double(cx - radius, cy - radius, 2 * radius, 2 * radius));
  }

  private static void writeGif(BufferedImage image, File file) throws IOException {
    if (!ImageIO.write(image, "gif", file)) throw new IOException("no GIF writer for " + file);
  }

  private static void writeJpeg(BufferedImage image, File file) throws IOException {
    Iterator<ImageWriter> writers = ImageIO.getImageWritersByFormatName("jpeg");
    if (!writers.hasNext()) throw new IOException("no JPEG writer for " + file);
    ImageWriter writer = writers.next();
    ImageWriteParam param = writer.getDefaultWriteParam();
    param.setCompressionMode(ImageWriteParam.MODE_EXPLICIT);
    param.setCompressionQuality(0.95f);
    if (file.exists() && !file.delete()) throw new IOException("cannot replace " + file);
    ImageOutputStream stream = ImageIO.createImageOutputStream(file);
    try {
      writer.setOutput(stream);
      writer.write(null, new IIOImage(image, null, null), param);
    } finally {
      stream.close();
      writer.dispose();
    }
  }
}
